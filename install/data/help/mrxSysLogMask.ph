Which kinds of log messages are sent to the log host: a comma-separated
list of levels, from the most to the least severe: emergency, alert,
critical, error, warning, notice, info, debug; or none. Example:
emergency,alert,critical,error
