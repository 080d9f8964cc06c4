// The floor of a script's tool: a console program that starts and ends.
int main() { return 0; }
