// Does nothing: what starting and ending a static program costs.
int main() { return 0; }
