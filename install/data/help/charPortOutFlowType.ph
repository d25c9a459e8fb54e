Flow control for data sent to the port: none, xonXoff (software),
hardware, ctsRts or dsrDtr.
