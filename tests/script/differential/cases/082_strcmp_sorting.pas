var words: array[1..7] of string;
  i, j: Integer;
  t: string;
begin
  words[1] := 'pear';
  words[2] := 'Apple';
  words[3] := 'apple';
  words[4] := 'fig';
  words[5] := 'banana';
  words[6] := 'Fig';
  words[7] := 'app';
  for i := 1 to 6 do
    for j := 1 to 7 - i do
      if words[j] > words[j + 1] then
      begin
        t := words[j];
        words[j] := words[j + 1];
        words[j + 1] := t;
      end;
  for i := 1 to 7 do
    PrintLn(words[i]);
end.
