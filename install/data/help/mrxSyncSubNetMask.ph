Subnet mask of the sync link.
