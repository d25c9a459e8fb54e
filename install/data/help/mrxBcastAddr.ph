IP broadcast address of the device's Ethernet network, normally the
address with all host bits set (address OR NOT mask). Setup mode computes
it for you when the address or the mask changes.
