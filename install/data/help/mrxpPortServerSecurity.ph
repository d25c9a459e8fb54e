enabled: network users who connect to this port through the port
server (reverse telnet) must log in.
