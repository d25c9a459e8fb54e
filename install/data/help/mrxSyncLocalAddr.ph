IP address of this end of the sync link. Not copied.
