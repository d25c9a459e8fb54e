A name for the port (for example the office or the line it serves).
