AppleTalk node id given to an ARAP caller on this port, as net.node
(for example 0.0 for a dynamic node). Belongs to one port; not copied.
