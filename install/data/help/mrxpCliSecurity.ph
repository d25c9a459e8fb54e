enabled: users must log in before they get the command line.
