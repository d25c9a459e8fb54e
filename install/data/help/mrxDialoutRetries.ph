How often a dial-out that fails is tried again (0 to 10).
