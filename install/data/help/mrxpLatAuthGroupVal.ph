LAT groups the user of this port may reach, as a list of group numbers
and ranges from 0 to 255 (for example 0,5,10-12).
