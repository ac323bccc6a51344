// vxlconf: configures a radio data modem over a serial port.
int main() { return 0; }
