Password sent with gpPPPRemoteUser.
