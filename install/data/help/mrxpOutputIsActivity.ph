true: traffic sent to the user also resets the inactivity timers.
Leave it false if keep-alive traffic should not hold idle lines up.
