// A 3x3 matrix kept in one array, row after row.
var m, r: array[0..8] of Integer;
  i, j, k: Integer;
  line: string;
begin
  for i := 0 to 8 do
    m[i] := i + 1;
  for i := 0 to 2 do
    for j := 0 to 2 do
    begin
      r[i * 3 + j] := 0;
      for k := 0 to 2 do
        r[i * 3 + j] := r[i * 3 + j] + m[i * 3 + k] * m[k * 3 + j];
    end;
  for i := 0 to 2 do
  begin
    line := '';
    for j := 0 to 2 do
      line := line + IntToStr(r[i * 3 + j]) + ' ';
    PrintLn(line);
  end;
end.
