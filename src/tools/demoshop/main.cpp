// Demo-shop generator (placeholder until it is built).
int main() { return 0; }
