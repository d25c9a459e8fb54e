Subnet mask of the device's Ethernet network, as a dotted mask
(for example 255.255.255.0). The broadcast address normally follows from
the address and the mask. Takes effect after the network interface reset.
