const MaxInt = 2147483647;
function Sign(n: Integer): string;
begin
  case n of
    -MaxInt - 1..-1: Result := 'negative';
    0: Result := 'zero';
  else
    Result := 'positive';
  end;
end;

begin
  PrintLn(Sign(-100));
  PrintLn(Sign(-1));
  PrintLn(Sign(0));
  PrintLn(Sign(1));
  PrintLn(Sign(MaxInt));
  PrintLn(Sign(-MaxInt - 1));
end.
