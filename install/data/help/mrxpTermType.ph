Terminal type assumed for command-line users of the port (for example
vt100).
