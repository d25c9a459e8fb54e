How users are authenticated: native (the device's own security
server protocol), radius or tacacs.
