true: traffic arriving from the user resets the inactivity timers.
