How the remote address of a PPP caller is chosen: none, required (the
port's remote address must be used), negotiated (the caller may propose
one) or optional.
