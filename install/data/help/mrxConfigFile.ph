Path of the device's configuration file on the load host. The modem
editor and the configuration file editor fetch this file. A change takes
effect after a full reset of the device.
