var bins: array[0..4] of Integer;
  i, v: Integer;
  bar: string;
begin
  for i := 0 to 4 do
    bins[i] := 0;
  v := 7;
  for i := 1 to 50 do
  begin
    v := (v * 31 + 11) mod 101;
    bins[v div 21] := bins[v div 21] + 1;
  end;
  for i := 0 to 4 do
  begin
    bar := '';
    while Length(bar) < bins[i] do
      bar := bar + '#';
    PrintLn(IntToStr(i) + ' ' + bar + ' ' + IntToStr(bins[i]));
  end;
end.
