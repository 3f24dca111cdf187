/* Catch the falling star: a star drops from the top; a click on it scores
   and drops a new one; one that reaches the ground escapes. */
#include "c_game.h"

#include <stdlib.h>

static BITMAP* picture = NULL; /* the game's own 320x240 sky */
static int star_x, star_y, score, best, latch;

static void drop_star(void) {
  star_x = 8 + rand() % 304;
  star_y = 0;
}

int c_game_init(void) {
  picture = create_bitmap(320, 240);
  if (picture == NULL) return 0;
  score = best = latch = 0;
  drop_star();
  return 1;
}

void c_game_shutdown(void) {
  if (picture != NULL) destroy_bitmap(picture);
  picture = NULL;
}

int c_game_update(int x, int y, int buttons) {
  int escaped = 0;
  const int click = buttons != 0 && !latch;
  latch = buttons != 0;
  star_y += 2;
  if (click && abs(x / 2 - star_x) < 8 && abs(y / 2 - star_y) < 8) {
    if (++score > best) best = score;
    drop_star();
  } else if (star_y > 240) {
    score = 0;
    escaped = 1;
    drop_star();
  }
  return escaped;
}

void c_game_draw(BITMAP* destination) {
  clear_to_color(picture, makecol(10, 10, 40));
  circlefill(picture, star_x, star_y, 6, makecol(255, 230, 90));
  textprintf_ex(picture, font, 2, 2, makecol(255, 255, 255), -1, "%d", score);
  stretch_blit(picture, destination, 0, 0, 320, 240, 0, 0, 640, 480);
}

int c_game_best(void) {
  return best;
}
