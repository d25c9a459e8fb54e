RIP updates sent on the interface: rip1, rip2 (multicast) or
rip1Compatible (RIP-2 packets broadcast so that RIP-1 routers read them).
