enabled: ARAP (AppleTalk remote access) users are authenticated.
