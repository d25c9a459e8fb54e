Kind of the first name server: none, dns (Domain Name System),
ien116 (the old IEN-116 name service) or nis. Set the address of the server
in mrxNameServer1Addr.
