RIP updates accepted on the interface: rip1, rip2 or rip1OrRip2.
