What an async port does: cli (command line for users), slip, ppp, arap,
ipx (PPP with IPX), autoDetect (the port recognises the protocol the caller
starts), dedicated (a fixed connection to a host), printer, portServer
(reverse connections from the network) or lat. Takes effect after the port
is reset.
