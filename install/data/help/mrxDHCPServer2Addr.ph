IP address of the backup DHCP server. 0.0.0.0 means none.
