enabled: the port detects the speed of the first characters typed;
disabled: the port uses rs232PortInSpeed.
