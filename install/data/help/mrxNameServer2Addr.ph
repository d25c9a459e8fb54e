IP address of the second (backup) name server. 0.0.0.0 means none.
