function AsFloat(n: Integer): Float;
begin
  Result := n;
end;

function Average(a, b: Integer): Float;
begin
  Result := (a + b) / 2;
end;

function Scale(v: Float; factor: Integer): Float;
begin
  Result := v * factor;
end;

begin
  Print('AsFloat(5)='); PrintLn(AsFloat(5));
  Print('AsFloat(5)/2='); PrintLn(AsFloat(5) / 2);
  Print('Average(3,4)='); PrintLn(Average(3, 4));
  Print('Average(-3,4)='); PrintLn(Average(-3, 4));
  Print('Scale(1.25,4)='); PrintLn(Scale(1.25, 4));
  Print('Scale(3,3)='); PrintLn(Scale(3, 3));
end.
