#include <cstdio>

int main() {
  std::puts("dbinstall: not assembled yet");
  return 0;
}
