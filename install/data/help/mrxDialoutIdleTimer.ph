Minutes after which an idle dial-out connection is dropped; 0 keeps it
until the user closes it.
