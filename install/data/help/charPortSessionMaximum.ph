Largest number of simultaneous sessions a user of the port may open.
