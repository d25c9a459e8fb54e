IPX frame type on the Ethernet: ethernetII, raw8023, ieee8022 or snap.
It must match the IPX servers of the network.
