Line speed of an async port in bits per second (for example 9600,
38400, 115200). Setting it turns autobaud off on most devices. For sync
ports the speed follows the clock and cannot be set here.
