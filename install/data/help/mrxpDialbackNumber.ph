Telephone number called back when dial-back is enabled.
