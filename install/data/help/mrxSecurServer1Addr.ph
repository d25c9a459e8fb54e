IP address of the first security (authentication) server.
