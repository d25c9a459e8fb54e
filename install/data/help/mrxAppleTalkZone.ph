AppleTalk zone in which the device and its ARAP users appear
(for example Engineering).
