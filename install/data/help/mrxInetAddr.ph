The device's own IP address on its Ethernet, as a dotted address
(for example 192.168.10.5). A change takes effect after the network
interface is reset; afterwards the device answers only at the new address,
so the device list entry must be changed too. Not copied to other devices.
