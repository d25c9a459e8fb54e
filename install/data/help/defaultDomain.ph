Domain name appended to host names that are not fully qualified
(for example example.net). Takes effect after the name server reset.
