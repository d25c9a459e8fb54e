The administrator (superuser) password of the device. Keep it secret;
the value is sent to the device as plain text.
