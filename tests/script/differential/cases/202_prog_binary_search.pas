var a: array[1..20] of Integer;
  i: Integer;
function Find(key: Integer): Integer;
var lo, hi, mid: Integer;
begin
  Result := -1;
  lo := 1;
  hi := 20;
  while lo <= hi do
  begin
    mid := (lo + hi) div 2;
    if a[mid] = key then
    begin
      Result := mid;
      Exit;
    end
    else if a[mid] < key then
      lo := mid + 1
    else
      hi := mid - 1;
  end;
end;
begin
  for i := 1 to 20 do
    a[i] := i * 3;
  PrintLn(Find(3));
  PrintLn(Find(60));
  PrintLn(Find(33));
  PrintLn(Find(34));
  PrintLn(Find(0));
end.
