Line protocol of a sync port: disabled, ppp, slip, hdlc or frameRelay.
