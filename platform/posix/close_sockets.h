#pragma once

namespace inkpane {

// Closes every socket the program holds, its connection to the display server
// among them, so that the server takes the program's windows away at once.
// A program that ends while one of its threads waits in a read the kernel
// will not interrupt (FUSE, a hard NFS mount) stays until the read returns,
// and with it every descriptor it holds; closed first, the connection goes
// now. Each socket's descriptor is pointed at a socket that never speaks
// rather than closed: a closed one would make Qt's thread that reads from the
// display server end the program with status 1, before the caller ends it
// with its own. Other descriptors are left: closing a file can wait on its
// storage.
void CloseEverySocket();

}  // namespace inkpane
