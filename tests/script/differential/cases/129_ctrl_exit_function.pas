function IndexOf(const s: string; c: string): Integer;
var i: Integer;
begin
  Result := -1;
  for i := 1 to Length(s) do
    if Copy(s, i, 1) = c then
    begin
      Result := i;
      Exit;
    end;
end;

function Clamp(v: Integer): Integer;
begin
  Result := v;
  if v > 10 then
  begin
    Result := 10;
    Exit;
  end;
  Result := Result * 2;
end;

begin
  PrintLn(IndexOf('hello', 'l'));
  PrintLn(IndexOf('hello', 'z'));
  PrintLn(Clamp(3));
  PrintLn(Clamp(30));
end.
