IP address of the far end of the sync link. Not copied.
