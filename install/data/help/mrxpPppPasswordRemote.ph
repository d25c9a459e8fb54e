Password that the port sends with mrxpPppUserRemote.
