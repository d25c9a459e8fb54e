Desired state of the interface: up, down or testing. Down stops all
traffic on it at once.
