LAT groups the device serves, as group numbers and ranges from 0 to 255
(for example 0,12-14).
