Password this end sends with mrxSyncPppUserRemote.
