Flow control for data coming from the port: none, xonXoff (software),
hardware, ctsRts or dsrDtr.
