Kind of the second (backup) name server: none, dns, ien116 or nis.
