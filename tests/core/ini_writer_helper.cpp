// Placeholder until the atomic-save test lands.
int main() { return 0; }
