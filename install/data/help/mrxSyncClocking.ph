external: the modem or DSU supplies the clock; internal: the device
does (set the rate with rs232PortOutSpeed).
