#include <avr/pgmspace.h>

const uint8_t PROGMEM coin_light[] = {
  B00000000, B00111100, B01111110, B01111110,
  0x7EU, 0x7EU, 0x3CU, 0x00U
};
const uint8_t PROGMEM coin_dark[] = {
  B00111100, B01000010, B10111101, B10100101,
  0xA5U, 0xBDU, 0x42U, 0x3CU
};
