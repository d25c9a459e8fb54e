The modem type of the port: the name of a modem definition in the modem
section of the configuration file (for example v34_external). Empty for a
port without a modem. A change needs a reset of the modem subsystem.
