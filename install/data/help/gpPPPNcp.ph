Network protocols PPP offers on the WAN channels, as the protocol code
built by the PPP Dial Access page (see mrxpPppNcp).
