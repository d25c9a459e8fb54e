enabled: dedicated connections started from this port are checked.
