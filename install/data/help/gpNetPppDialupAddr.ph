How the caller's address is chosen on the WAN channels: none,
required, negotiated or optional.
