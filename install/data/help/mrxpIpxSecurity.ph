enabled: IPX dial-in users are authenticated.
