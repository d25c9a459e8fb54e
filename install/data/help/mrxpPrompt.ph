Prompt shown at the command line of the port; empty for the device's
default prompt.
