Minutes of inactivity after which a command-line session on the port is
ended; 0 never ends it.
