Which RS-232 control lines the port watches: none, modem (DCD and DTR;
the session ends when the carrier drops), dsr, or dtrDsr.
