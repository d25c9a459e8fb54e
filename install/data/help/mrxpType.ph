Who starts sessions on an async port: hardwired (a terminal on a cable),
dialin (a modem that takes calls), dialout (a modem used to call out) or
bidirectional (both).
