IPX network number of the Ethernet, in hexadecimal (for example 1A2B).
