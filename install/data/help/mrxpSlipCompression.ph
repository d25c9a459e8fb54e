enabled: Van Jacobson TCP header compression on SLIP and PPP.
