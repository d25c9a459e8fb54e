Extra arguments of the dedicated connection, as the device's command
line would take them (for example a service name). Empty for none.
