enabled: after a successful login the port hangs up and calls the user
back at mrxpDialbackNumber.
