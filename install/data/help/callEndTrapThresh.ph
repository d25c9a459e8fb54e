Number of ended calls (1 to 255) after which a call-end trap is sent.
