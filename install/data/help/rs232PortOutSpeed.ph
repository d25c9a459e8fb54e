Clock rate of a sync port in bits per second when the device supplies
the clock.
