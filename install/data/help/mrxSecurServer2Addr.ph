IP address of the second (backup) security server.
