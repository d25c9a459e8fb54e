enabled: SLIP users are authenticated.
