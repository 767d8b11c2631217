# Sourced by the whole-program comparisons: one English paragraph of about
# 100 words, which espeak-ng speaks at about 190 words a minute.
# write_story WORDS FILE writes it, paragraph after paragraph, until the file
# holds at least WORDS words less one paragraph.
story_paragraph="When the morning train was late again, the passengers on the platform began to talk
among themselves. Some of them complained about the weather, others about the timetable, and a
few simply read their newspapers as if nothing had happened. A child asked her mother why trains
could not fly, and the mother, after thinking for a moment, said that the sky was already full of
birds. The old man beside them laughed and told a story about the winter of nineteen sixty three,
when the snow was so deep that the line was closed for eleven days and the village ran out of bread."
story_paragraph_words=$(echo "$story_paragraph" | wc -w)

write_story() {
  local n=$(( $1 / story_paragraph_words ))
  for _ in $(seq "$n"); do echo "$story_paragraph"; echo; done >"$2"
}
