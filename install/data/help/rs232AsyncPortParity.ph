Parity of the port: none, odd, even, mark or space.
