Subnet mask of the remote network behind a caller on a WAN channel.
